<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr_FR">
<context>
    <name>Form1</name>
    <message>
        <source>Progress Bar</source>
        <translation>Barre de progression</translation>
    </message>
    <message>
        <source>Move | line to right and out of window to reveal full names.</source>
        <translation>Tirez le trait | vers la droite, hors de la fenêtre, pour voir les noms en entier.</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Aide</translation>
    </message>
    <message>
        <source>List Options</source>
        <translation>Choix de la liste</translation>
    </message>
    <message>
        <source>Halvard&apos;s List - Generate random names from my list of names</source>
        <translation>Liste de Halvard – Noms tirés au hasard de ma liste</translation>
    </message>
    <message>
        <source>Gender Options (Halvard&apos;s List Only)</source>
        <translation>Genre des prénoms (Liste de Halvard)</translation>
    </message>
    <message>
        <source>Both</source>
        <translation>Tous</translation>
    </message>
    <message>
        <source>Male Only</source>
        <translation>Masculins</translation>
    </message>
    <message>
        <source>Female Only</source>
        <translation>Féminins</translation>
    </message>
    <message>
        <source>User List - Generate random names from your list of names</source>
        <translation>Liste personnelle – Noms tirés au hasard de votre liste</translation>
    </message>
    <message>
        <source>Part Of Name</source>
        <translation>Partie du nom</translation>
    </message>
    <message>
        <source>First and Last Name</source>
        <translation>Prénom et nom</translation>
    </message>
    <message>
        <source>First Name Only</source>
        <translation>Prénom seul</translation>
    </message>
    <message>
        <source>Last Name Only</source>
        <translation>Nom seul</translation>
    </message>
    <message>
        <source>How many names would you like to generate?</source>
        <translation>Combien de noms voulez-vous générer&#x202f;?</translation>
    </message>
    <message>
        <source>First Names</source>
        <translation>Prénoms</translation>
    </message>
    <message>
        <source>Add First Name</source>
        <translation>Ajouter un prénom</translation>
    </message>
    <message>
        <source>Load First Names From File</source>
        <translation>Charger des prénoms</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Supprimer</translation>
    </message>
    <message>
        <source>Last Names</source>
        <translation>Noms de famille</translation>
    </message>
    <message>
        <source>Add Last Name</source>
        <translation>Ajouter un nom</translation>
    </message>
    <message>
        <source>Load Last Names From File</source>
        <translation>Charger des noms</translation>
    </message>
    <message>
        <source>Start Generating</source>
        <translation>Lancer la génération</translation>
    </message>
    <message>
        <source>How many does not appear to be a number.</source>
        <translation>Le nombre de noms demandé ne semble pas être un nombre.</translation>
    </message>
    <message>
        <source>You must select an amount less than one million.</source>
        <translation>Vous devez choisir un nombre inférieur à un million.</translation>
    </message>
    <message>
        <source>Load List(s) - Hold Ctrl to select multiple list files</source>
        <translation>Charger une ou plusieurs listes – Maintenez Ctrl pour choisir plusieurs fichiers</translation>
    </message>
    <message>
        <source>Text Files (*.txt)</source>
        <translation>Fichiers texte (*.txt)</translation>
    </message>
    <message>
        <source>All Files (*.*)</source>
        <translation>Tous les fichiers (*.*)</translation>
    </message>
    <message>
        <source>Input first name: </source>
        <translation>Saisissez un prénom&#xa0;: </translation>
    </message>
    <message>
        <source>Input last name: </source>
        <translation>Saisissez un nom de famille&#xa0;: </translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Vider</translation>
    </message>
    <message>
        <source>You have two options for generating: </source>
        <translation>Vous pouvez générer des noms de deux façons&#xa0;: </translation>
    </message>
    <message>
        <source>1. You can generate from Halvard&apos;s List which contains my collection of first and last names.</source>
        <translation>1. À partir de la Liste de Halvard, qui contient ma collection de prénoms et de noms de famille.</translation>
    </message>
    <message>
        <source>2. You can generate using your User List. In this case, names can be loaded from a text file or added one at a time.</source>
        <translation>2. À partir de votre liste personnelle. Les noms peuvent alors être chargés d’un fichier texte ou ajoutés un par un.</translation>
    </message>
    <message>
        <source>File not found</source>
        <translation>Fichier introuvable</translation>
    </message>
    <message>
        <source>None of these first names was given in %1.</source>
        <translation>Aucun de ces prénoms n’a été donné en %1.</translation>
    </message>
    <message>
        <source>There are no first names to draw from.</source>
        <translation>Il n’y a aucun prénom à tirer.</translation>
    </message>
    <message>
        <source>There are no last names to draw from.</source>
        <translation>Il n’y a aucun nom de famille à tirer.</translation>
    </message>
    <message>
        <source>These lists can make %1 different names, fewer than asked for.</source>
        <translation>Ces listes ne donnent que %1 noms différents, moins que demandé.</translation>
    </message>
    <message>
        <source>The years of birth run from %1 to %2.</source>
        <translation>Les années de naissance vont de %1 à %2.</translation>
    </message>
    <message>
        <source>The first year comes after the last.</source>
        <translation>La première année vient après la dernière.</translation>
    </message>
    <message>
        <source>A year, such as 1954, or two years, such as 2000-2009.</source>
        <translation>Une année, comme 1954, ou deux années, comme 2000-2009.</translation>
    </message>
    <message>
        <source>A whole number from 0 to 18446744073709551615.</source>
        <translation>Un nombre entier de 0 à 18446744073709551615.</translation>
    </message>
    <message>
        <source>&amp;Names</source>
        <translation>&amp;Noms</translation>
    </message>
    <message>
        <source>&amp;Common Names More Often</source>
        <translation>Noms &amp;courants plus souvent</translation>
    </message>
    <message>
        <source>&amp;Born In…</source>
        <translation>&amp;Nés en…</translation>
    </message>
    <message>
        <source>&amp;No Repeated Names</source>
        <translation>&amp;Pas de noms répétés</translation>
    </message>
    <message>
        <source>&amp;Keep Spaces Inside Names</source>
        <translation>Garder les &amp;espaces dans les noms</translation>
    </message>
    <message>
        <source>&amp;Same Names Each Time…</source>
        <translation>&amp;Mêmes noms à chaque fois…</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Aide</translation>
    </message>
    <message>
        <source>&amp;About Quillory</source>
        <translation>À &amp;propos de Quillory</translation>
    </message>
    <message>
        <source>About Quillory</source>
        <translation>À propos de Quillory</translation>
    </message>
    <message>
        <source>Random French personal names, drawn from the built-in names or from your own.</source>
        <translation>Des noms de personnes français au hasard, tirés des noms intégrés ou des vôtres.</translation>
    </message>
    <message>
        <source>The built-in names and their births come from INSEE, the French national statistics office (Source : INSEE), under the Licence Ouverte / Open Licence 2.0.</source>
        <translation>Les noms intégrés et leurs naissances viennent de l’INSEE, l’institut national de la statistique (Source : INSEE), sous Licence Ouverte / Open Licence 2.0.</translation>
    </message>
    <message>
        <source>&amp;Born In %1…</source>
        <translation>&amp;Nés en %1…</translation>
    </message>
    <message>
        <source>&amp;Same Names Each Time (Seed %1)…</source>
        <translation>&amp;Mêmes noms à chaque fois (graine %1)…</translation>
    </message>
    <message>
        <source>Born In</source>
        <translation>Nés en</translation>
    </message>
    <message>
        <source>&amp;Any year</source>
        <translation>&amp;N’importe quelle année</translation>
    </message>
    <message>
        <source>&amp;In the years</source>
        <translation>&amp;Dans les années</translation>
    </message>
    <message>
        <source>Same Names Each Time</source>
        <translation>Mêmes noms à chaque fois</translation>
    </message>
    <message>
        <source>A &amp;new seed for every run</source>
        <translation>Une &amp;nouvelle graine à chaque tirage</translation>
    </message>
    <message>
        <source>&amp;Seed</source>
        <translation>&amp;Graine</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>É&amp;dition</translation>
    </message>
    <message>
        <source>&amp;Undo %1</source>
        <translation>&amp;Annuler « %1 »</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Annuler</translation>
    </message>
    <message>
        <source>&amp;Redo %1</source>
        <translation>&amp;Rétablir « %1 »</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Rétablir</translation>
    </message>
    <message>
        <source>“%1” cannot be redone: the names it changed have been changed since, by another copy of Quillory.</source>
        <translation>« %1 » ne peut pas être rétabli : les noms concernés ont été modifiés depuis par une autre copie de Quillory.</translation>
    </message>
    <message>
        <source>“%1” cannot be undone: the names it changed have been changed since, by another copy of Quillory.</source>
        <translation>« %1 » ne peut pas être annulé : les noms concernés ont été modifiés depuis par une autre copie de Quillory.</translation>
    </message>
    <message>
        <source>Delete First Name</source>
        <translation>Supprimer un prénom</translation>
    </message>
    <message>
        <source>Delete Last Name</source>
        <translation>Supprimer un nom</translation>
    </message>
    <message>
        <source>Clear First Names</source>
        <translation>Vider les prénoms</translation>
    </message>
    <message>
        <source>Clear Last Names</source>
        <translation>Vider les noms</translation>
    </message>
    <message>
        <source>Drop Files on First Names</source>
        <translation>Déposer des fichiers sur les prénoms</translation>
    </message>
    <message>
        <source>Drop Files on Last Names</source>
        <translation>Déposer des fichiers sur les noms</translation>
    </message>
    <message>
        <source>No new name came for name %1 in %2 draws, each given already: ask for fewer names.</source>
        <translation>Aucun nom nouveau n’est venu pour le nom %1 en %2 tirages, tous déjà donnés&#xa0;: demandez moins de noms.</translation>
    </message>
    <message>
        <source>Nobody alive today was born in %1 at those ages.</source>
        <translation>Personne en vie aujourd’hui n’est né en %1 à ces âges.</translation>
    </message>
    <message>
        <source>Nobody alive today is of those ages.</source>
        <translation>Personne en vie aujourd’hui n’a ces âges.</translation>
    </message>
    <message>
        <source>None of these first names was given to girls born in %1–%2, and some of the people alive today were born then.</source>
        <translation>Aucun de ces prénoms n’a été donné aux filles nées en %1–%2, et certaines des personnes en vie aujourd’hui sont nées alors.</translation>
    </message>
    <message>
        <source>None of these first names was given to boys born in %1–%2, and some of the people alive today were born then.</source>
        <translation>Aucun de ces prénoms n’a été donné aux garçons nés en %1–%2, et certaines des personnes en vie aujourd’hui sont nées alors.</translation>
    </message>
    <message>
        <source>Ages run from 0 to %1.</source>
        <translation>Les âges vont de 0 à %1.</translation>
    </message>
    <message>
        <source>The first age is above the last.</source>
        <translation>Le premier âge dépasse le dernier.</translation>
    </message>
    <message>
        <source>An age, such as 30, or two ages, such as 18-65 (0-110 for all).</source>
        <translation>Un âge, comme 30, ou deux âges, comme 18-65 (0-110 pour tous).</translation>
    </message>
    <message>
        <source>&amp;People Of Today…</source>
        <translation>Personnes d’au&amp;jourd’hui…</translation>
    </message>
    <message>
        <source>The people of today follow the population of France by sex and age (Source : Insee, estimations de population au 1er janvier 2026).</source>
        <translation>Les personnes d’aujourd’hui suivent la population de la France par sexe et par âge (Source : Insee, estimations de population au 1er janvier 2026).</translation>
    </message>
    <message>
        <source>&amp;People Of Today (%1)…</source>
        <translation>Personnes d’au&amp;jourd’hui (%1)…</translation>
    </message>
    <message>
        <source>People Of Today</source>
        <translation>Personnes d’aujourd’hui</translation>
    </message>
    <message>
        <source>&amp;Any age</source>
        <translation>&amp;N’importe quel âge</translation>
    </message>
    <message>
        <source>&amp;Alive today, aged</source>
        <translation>&amp;En vie aujourd’hui, âgées de</translation>
    </message>
    <message>
        <source>The places come from INSEE and La Poste (Source : INSEE, Code officiel géographique 2026 et populations légales 2023 ; La Poste, base officielle des codes postaux. Licence Ouverte / Open Licence 2.0).</source>
        <translation>Les lieux viennent de l’INSEE et de La Poste (Source : INSEE, Code officiel géographique 2026 et populations légales 2023 ; La Poste, base officielle des codes postaux. Licence Ouverte / Open Licence 2.0).</translation>
    </message>
</context>
<context>
    <name>Form2</name>
    <message>
        <source>Done.</source>
        <translation>Terminé.</translation>
    </message>
    <message>
        <source>was created.</source>
        <translation>a été créé.</translation>
    </message>
    <message>
        <source>&lt; Back</source>
        <translation>&lt; Retour</translation>
    </message>
    <message>
        <source>Output</source>
        <translation>Sortie</translation>
    </message>
    <message>
        <source>Text File</source>
        <translation>Fichier texte</translation>
    </message>
    <message>
        <source>Excel (2 cells)</source>
        <translation>Excel (2 cellules)</translation>
    </message>
    <message>
        <source>Excel (1 cell)</source>
        <translation>Excel (1 cellule)</translation>
    </message>
    <message>
        <source>Save Results To This Folder</source>
        <translation>Enregistrer les résultats dans ce dossier</translation>
    </message>
    <message>
        <source>...</source>
        <translation>...</translation>
    </message>
    <message>
        <source>Save Results</source>
        <translation>Enregistrer les résultats</translation>
    </message>
    <message>
        <source>Names</source>
        <translation>Noms</translation>
    </message>
    <message>
        <source>Folder does not exist. Please select another folder.</source>
        <translation>Ce dossier n’existe pas. Veuillez en choisir un autre.</translation>
    </message>
    <message>
        <source>Save To This Folder</source>
        <translation>Enregistrer dans ce dossier</translation>
    </message>
    <message>
        <source>%1 is the names database and is never written over</source>
        <translation>%1 est la base des noms et n’est jamais écrasée</translation>
    </message>
    <message>
        <source>Text, one name a line (*.txt)</source>
        <translation>Texte, un nom par ligne (*.txt)</translation>
    </message>
    <message>
        <source>CSV (*.csv)</source>
        <translation>CSV (*.csv)</translation>
    </message>
    <message>
        <source>JSON lines (*.jsonl)</source>
        <translation>Lignes JSON (*.jsonl)</translation>
    </message>
    <message>
        <source>Workbook, one name a cell (*.xlsx)</source>
        <translation>Classeur, un nom par cellule (*.xlsx)</translation>
    </message>
    <message>
        <source>Workbook, first and last names in two cells (*.xlsx)</source>
        <translation>Classeur, prénom et nom dans deux cellules (*.xlsx)</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Fichier</translation>
    </message>
    <message>
        <source>Save &amp;As…</source>
        <translation>Enregistrer &amp;sous…</translation>
    </message>
    <message>
        <source>&amp;Copy All Names</source>
        <translation>&amp;Copier tous les noms</translation>
    </message>
    <message>
        <source>1 name</source>
        <translation>1 nom</translation>
    </message>
    <message>
        <source>%1 names</source>
        <translation>%1 noms</translation>
    </message>
    <message>
        <source>seed %1</source>
        <translation>graine %1</translation>
    </message>
    <message>
        <source>Save As</source>
        <translation>Enregistrer sous</translation>
    </message>
    <message>
        <source>CSV with sex, birth date, title and e-mail (*.csv)</source>
        <translation>CSV avec sexe, date de naissance, civilité et e-mail (*.csv)</translation>
    </message>
    <message>
        <source>JSON lines with sex, birth date, title and e-mail (*.jsonl)</source>
        <translation>Lignes JSON avec sexe, date de naissance, civilité et e-mail (*.jsonl)</translation>
    </message>
    <message>
        <source>%1 already exists.
Do you want to replace it?</source>
        <translation>%1 existe déjà.
Voulez-vous le remplacer ?</translation>
    </message>
    <message>
        <source>%1 is a database and is never written over</source>
        <translation>%1 est une base de données et n’est jamais écrasé</translation>
    </message>
    <message>
        <source>No spreadsheet program is installed to open the workbook.
Save it as a file instead?</source>
        <translation>Aucun tableur n’est installé pour ouvrir le classeur.
L’enregistrer plutôt dans un fichier ?</translation>
    </message>
    <message>
        <source>Too many people to show.</source>
        <translation>Trop de personnes à afficher.</translation>
    </message>
    <message>
        <source>Sex</source>
        <translation>Sexe</translation>
    </message>
    <message>
        <source>Born</source>
        <translation>Naissance</translation>
    </message>
    <message>
        <source>Title</source>
        <translation>Civilité</translation>
    </message>
    <message>
        <source>E-mail</source>
        <translation>Courriel</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Affichage</translation>
    </message>
    <message>
        <source>Show &amp;People</source>
        <translation>Afficher les &amp;personnes</translation>
    </message>
    <message>
        <source>drawing the people…</source>
        <translation>tirage des personnes…</translation>
    </message>
    <message>
        <source>CSV with every field (*.csv)</source>
        <translation>CSV avec tous les champs (*.csv)</translation>
    </message>
    <message>
        <source>JSON lines with every field (*.jsonl)</source>
        <translation>Lignes JSON avec tous les champs (*.jsonl)</translation>
    </message>
</context>
<context>
    <name>quillory</name>
    <message>
        <source>Object variable not set</source>
        <translation>Variable objet non définie</translation>
    </message>
    <message>
        <source>Invalid picture</source>
        <translation>Image non valide</translation>
    </message>
    <message>
        <source>No application could open %1</source>
        <translation>Aucune application n’a pu ouvrir %1</translation>
    </message>
    <message>
        <source>The program could not be started: %1</source>
        <translation>Le programme n’a pas pu être lancé&#xa0;: %1</translation>
    </message>
    <message>
        <source>Out of memory</source>
        <translation>Mémoire insuffisante</translation>
    </message>
    <message>
        <source>Unknown error</source>
        <translation>Erreur inconnue</translation>
    </message>
    <message>
        <source>Invalid procedure call or argument</source>
        <translation>Appel de procédure ou argument non valide</translation>
    </message>
    <message>
        <source>The settings could not be saved: %1</source>
        <translation>Les réglages n’ont pas pu être enregistrés&#xa0;: %1</translation>
    </message>
    <message>
        <source>Type mismatch</source>
        <translation>Type incompatible</translation>
    </message>
    <message>
        <source>No spreadsheet application was found that can open .xlsx workbooks</source>
        <translation>Aucun tableur capable d’ouvrir les classeurs .xlsx n’a été trouvé</translation>
    </message>
    <message>
        <source>Path not found: %1</source>
        <translation>Chemin introuvable&#xa0;: %1</translation>
    </message>
    <message>
        <source>The workbook could not be written in full</source>
        <translation>Le classeur n’a pas pu être écrit en entier</translation>
    </message>
    <message>
        <source>unable to make the user&apos;s copy of %1 (%2): %3</source>
        <translation>impossible de faire la copie personnelle de %1 (%2)&#xa0;: %3</translation>
    </message>
    <message>
        <source>cannot make the folder %1</source>
        <translation>impossible de créer le dossier %1</translation>
    </message>
    <message>
        <source>The name database is not open: %1</source>
        <translation>La base de noms n’est pas ouverte&#xa0;: %1</translation>
    </message>
    <message>
        <source>Not a text file</source>
        <translation>Ce n’est pas un fichier texte</translation>
    </message>
    <message>
        <source>Not a regular file</source>
        <translation>Ce n’est pas un fichier ordinaire</translation>
    </message>
    <message>
        <source>not a names database</source>
        <translation>ce n’est pas une base de noms</translation>
    </message>
    <message>
        <source>One line of %1 held control characters and was not imported.</source>
        <translation>Une ligne de %1 contenait des caractères de contrôle et n’a pas été importée.</translation>
    </message>
    <message>
        <source>%1 lines of %2 held control characters and were not imported.</source>
        <translation>%1 lignes de %2 contenaient des caractères de contrôle et n’ont pas été importées.</translation>
    </message>
    <message>
        <source>nobody is reading the named pipe</source>
        <translation>personne ne lit le tube nommé</translation>
    </message>
    <message>
        <source>%1: cannot make a file here to replace %2 safely</source>
        <translation>%1 : impossible d’y créer un fichier pour remplacer %2 sans risque</translation>
    </message>
    <message>
        <source>cannot make a temporary file in %1: %2</source>
        <translation>impossible de créer un fichier temporaire dans %1 : %2</translation>
    </message>
    <message>
        <source>population table, line %1: not an age, a year of birth and the numbers of men and women</source>
        <translation>table de population, ligne %1 : ce n’est pas un âge, une année de naissance et les nombres d’hommes et de femmes</translation>
    </message>
</context>
<context>
    <name>quillory::ListControl</name>
    <message>
        <source>Copy</source>
        <translation>Copier</translation>
    </message>
    <message>
        <source>Copy All Names</source>
        <translation>Copier tous les noms</translation>
    </message>
</context>
</TS>
